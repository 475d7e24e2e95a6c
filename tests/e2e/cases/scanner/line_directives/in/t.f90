program p
#line 10 "orig.f"
l = 1 !xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx
i = 2147483648
#line 20
j = 2147483648
# 7 "other.f"
k = 2147483648
#line
#line 0
#line 5 x
#line 5 "abc
end program p
