program p
x = 1
