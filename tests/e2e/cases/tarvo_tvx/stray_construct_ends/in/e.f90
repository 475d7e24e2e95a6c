subroutine e(x)
if (x > 0) then
  do
    x = x - 1
    end if
  end do
end if
if (x) 10, 10, 10
10 x = 2
end
