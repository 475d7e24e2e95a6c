program p
i = 2147483648
i = 1_3
x = 1.0e400
x = 1.0d0_2
data i /b''/
data i /z'1G'/
i = 2147483647
data i /z'FFFFFFFF'/
x = 1.0e39
x = 1.0e39_2
data i /o'37777777777'/
l = .true._3
c = 2_'ab'
i = 1_k
end program p
