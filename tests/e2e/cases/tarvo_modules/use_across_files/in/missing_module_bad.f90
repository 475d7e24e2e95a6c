subroutine missing_module_bad
  use nowhere
end subroutine missing_module_bad
