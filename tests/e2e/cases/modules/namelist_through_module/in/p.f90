program p
use nm
use nmp
read (*, nml=grp)
write (*, nml=outer)
end program p
