module m
  interface operator(=)
end module m
