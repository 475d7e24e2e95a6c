module mb
integer :: y
end module mb
