! status: 2
program references
  character*10 longs(2)
  call two(1, 2)
  call two(b=2, a=1)
! expect: error: too few arguments for the procedure TWO
  call two(1)
! expect: error: too many arguments for the procedure TWO
  call two(1, 2, 3)
! expect: error: keyword argument missing for the procedure TWO
  call two(c=1, a=2)
! expect: error: improper keyword arguments encountered for the procedure TWO
  call two(1, 2, c=3)
! expect: error: incompatible argument for the procedure TWO
  call two(1, 2.5)
! expect: error: character length not agreed with that of the dummy argument
  call shorts(longs)
! expect: error: keyword is not allowed
  call outside(x=1)
contains
  subroutine two(a, b)
    integer a, b
    a = b
  end subroutine two
  subroutine shorts(s)
    character*5 s(2)
    s(1) = 'x'
  end subroutine shorts
end program references

subroutine again(n)
! expect: error: recursive call of a non-recursive or statement function
  call again(n - 1)
end subroutine again
