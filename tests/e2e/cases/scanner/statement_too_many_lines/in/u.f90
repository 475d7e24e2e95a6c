program p
character(200) :: s
s = 'a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&a&
&b&
&c'
i = 2147483648
end program p
