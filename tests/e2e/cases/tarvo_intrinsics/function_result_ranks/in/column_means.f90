! Array-valued module functions as arguments of intrinsics whose result
! rank follows their arguments' ranks.
module column_means
  implicit none
contains
  function colmean(a) result(m)
    real, intent(in) :: a(:,:)
    real :: m(size(a, 2))
    m = sum(a, dim=1) / size(a, 1)
  end function colmean

  function centred(a) result(c)
    real, intent(in) :: a(:,:)
    real :: c(size(a, 1), size(a, 2))
    c = a - spread(colmean(a), dim=1, ncopies=size(a, 1))
    c = c - spread(2.0 * colmean(a) - 1.0, 1, size(a, 1))
    c = matmul(c, matmul(transpose(c), c))
    c = c + matmul(reshape(colmean(c), (/ size(a, 1), 1 /)), reshape(colmean(a), (/ 1, size(a, 2) /)))
  end function centred

  subroutine report(a)
    real, intent(in) :: a(:,:)
    real :: g(size(a, 1), size(a, 1))
    print *, size(colmean(a)), lbound(centred(a), 1), shape(centred(a))
    g = matmul(centred(a), transpose(centred(a)))
    print *, sum(spread(colmean(a), 2, 3)), maxval(g)
  end subroutine report
end module column_means
