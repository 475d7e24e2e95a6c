! Array and character constants that check themselves: elements, sections,
! constructors, array inquiries, RESHAPE, and the character
! intrinsics, each dividing by zero only when the folded value is wrong.
program arrays_and_strings
  implicit none
  integer, parameter :: a(3) = (/ 10, 20, 30 /)
  integer, parameter :: b(2, 2) = reshape((/ 1, 2, 3, 4 /), (/ 2, 2 /))
  integer, parameter :: rev(3) = a(3:1:-1)
  integer, parameter :: picked(2) = a((/ 3, 1 /))
  integer, parameter :: t(6) = (/ 1, 2, 3, 4, 5, 6 /)
  integer, parameter :: r(2, 3) = reshape(t, (/ 2, 3 /), order = (/ 2, 1 /))
  integer, parameter :: plus(3) = a + 1
  integer, parameter :: x1 = 1 / (1 - min(abs(a(2) - 20), 1))
  integer, parameter :: x2 = 1 / (1 - min(abs(b(1, 2) - 3), 1))
  integer, parameter :: x3 = 1 / (1 - min(abs(rev(1) - 30), 1))
  integer, parameter :: x4 = 1 / (1 - min(abs(picked(2) - 10), 1))
  integer, parameter :: x7 = 1 / (1 - min(abs(r(2, 1) - 4), 1))
  integer, parameter :: x8 = 1 / (1 - min(abs(r(1, 2) - 2), 1))
  integer, parameter :: x9 = 1 / (1 - min(abs(plus(3) - 31), 1))
  integer, parameter :: x10 = 1 / (1 - min(abs(size(b) - 4), 1))
  integer, parameter :: x11 = 1 / (1 - min(abs(ubound(r, 2) - 3), 1))
  integer, parameter :: x12 = 1 / (1 - min(abs(size(a(2:3)) - 2), 1))
  ! Characters.
  character(len=*), parameter :: s = 'abcdef'
  character(len=*), parameter :: mid = s(2:4)
  character(len=*), parameter :: cat = 'ab' // 'cde'
  character(len=*), parameter :: left = adjustl('  ab')
  character(len=*), parameter :: right = adjustr('ab  ')
  character(len=*), parameter :: trimmed = trim('ab  ')
  character(len=*), parameter :: rep = repeat('ab', 3)
  integer, parameter :: c1 = 1 / (1 - min(abs(len(mid) - 3), 1))
  integer, parameter :: c2 = 1 / (1 - min(abs(iachar(mid(1:1)) - iachar('b')), 1))
  integer, parameter :: c3 = 1 / (1 - min(abs(len(cat) - 5), 1))
  integer, parameter :: c4 = 1 / (1 - min(abs(iachar(cat(3:3)) - iachar('c')), 1))
  integer, parameter :: c5 = 1 / (1 - min(abs(iachar(left(1:1)) - iachar('a')), 1))
  integer, parameter :: c6 = 1 / (1 - min(abs(len_trim(right) - 4), 1))
  integer, parameter :: c7 = 1 / (1 - min(abs(len(trimmed) - 2), 1))
  integer, parameter :: c8 = 1 / (1 - min(abs(len(rep) - 6), 1))
  integer, parameter :: c9 = 1 / (1 - min(abs(len_trim('   ')), 1))
  integer, parameter :: c10 = 1 / (1 - min(abs(len('abc'(3:2))), 1))
end program arrays_and_strings
