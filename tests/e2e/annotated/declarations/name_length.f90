! A name longer than 31 characters is reported once, where it is declared.
subroutine long_name
! expect: error:  the maximum length of a name is 31 characters
  integer :: abcdefghijabcdefghijabcdefghijab
  abcdefghijabcdefghijabcdefghijab = 1
end subroutine long_name
! status: 2
