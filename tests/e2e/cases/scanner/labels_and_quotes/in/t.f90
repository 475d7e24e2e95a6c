program p
1234567 continue
00000 continue
x = 'abc
y = "abc
end program p &
