include './b.h'
