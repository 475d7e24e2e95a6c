module nm
integer a, b
namelist /grp/ a, b
end module nm
module nmp
integer, private :: hidden
integer shown
namelist /inner/ hidden
namelist /outer/ shown
private :: inner
end module nmp
