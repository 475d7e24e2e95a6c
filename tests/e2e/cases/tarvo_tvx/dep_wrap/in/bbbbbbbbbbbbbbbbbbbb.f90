module mb
integer :: vb
end module mb
