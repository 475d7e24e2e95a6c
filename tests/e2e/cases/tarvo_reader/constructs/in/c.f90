program p
integer :: k, a(3)
outer: do k = 1, 3
  select case (k)
  case (1)
    cycle outer
  case default
    exit
  case default
  end select
  sel: select case (k)
  case (2) sel
  case (3) other
  end select
  if (k > 0) then
    cycle iff
  end if
end do outer
exit
where (a > 0)
  a = 0
elsewhere
  a = 1
elsewhere
end where
end where
where (a > 0) a = 2
case (1)
end select
sel2: select case (k)
end select
top: if (k > 0) then
  do
    exit top
  end do
end if top
select case (k)
end program p
