! status: 2
! The module that extends LEN and SIZE uses the intrinsics itself, in a
! result length and in statements, before and after the specifics are
! defined; a program calls the function whose result length uses LEN.
module words
implicit none
private
public :: word, len, size, upper, pieces
type word
  integer :: n
  character(len=40) :: text
end type word
interface len
  module procedure word_len
end interface
interface size
  module procedure word_size
end interface
contains
function upper(c) result(u)
character(len=*), intent(in) :: c
character(len=len(c)) :: u
integer :: i
u = c
do i = 1, len(c)
  if (u(i:i) >= 'a' .and. u(i:i) <= 'z') u(i:i) = char(ichar(u(i:i)) - 32)
end do
end function upper
integer function word_len(w)
type(word), intent(in) :: w
word_len = w%n
end function word_len
integer function word_size(w)
type(word), intent(in) :: w
word_size = 1
end function word_size
function pieces(w, c) result(p)
type(word), intent(in) :: w
character(len=*), intent(in) :: c
integer :: p(len(c))
p = len(w)
end function pieces
end module words
program shout
use words
implicit none
type(word) :: w
real :: x(3)
w%n = 2
w%text = 'hi'
print *, upper('abc'), len(w), size(pieces(w, 'xy')), size(x)
! expect: error: no matching routine for the generic name LEN
print *, len(x)
end program shout
