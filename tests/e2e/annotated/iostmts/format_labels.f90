! FORMAT labels: referenced before their definition, never defined, or
! used as a branch target.
program labels
  integer :: i
  read (5, 200) i
! expect: error: label "300" was referenced but not defined
  write (6, 300) i
200 format (I5)
! expect: error: label must be an executable-statement label
  go to 200
! status: 2
end program labels
