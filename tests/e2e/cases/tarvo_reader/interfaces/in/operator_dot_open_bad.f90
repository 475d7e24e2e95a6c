module m
  interface operator(.cross)
end module m
