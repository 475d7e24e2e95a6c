module mc
integer :: vc
end module mc
