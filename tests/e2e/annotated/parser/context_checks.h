! an included comment
