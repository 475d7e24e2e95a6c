module ma
integer :: va
end module ma
