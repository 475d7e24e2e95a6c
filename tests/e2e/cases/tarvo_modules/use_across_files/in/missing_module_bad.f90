subroutine missing_module_bad
  use nowhere
end subroutine missing_module_bad
subroutine missing_module_names
  use elsewhere
  implicit none
  print *, alpha, beta
end subroutine missing_module_names
