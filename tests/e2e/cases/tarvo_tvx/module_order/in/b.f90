module mb
integer :: x
end module mb
