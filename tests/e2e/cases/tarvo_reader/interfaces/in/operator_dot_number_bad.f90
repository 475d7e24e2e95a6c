module m
  interface operator(.1.)
end module m
