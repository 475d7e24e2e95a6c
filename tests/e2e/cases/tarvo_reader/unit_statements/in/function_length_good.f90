character function f*4(x)
  real x
  f = 'abcd'
end function f
