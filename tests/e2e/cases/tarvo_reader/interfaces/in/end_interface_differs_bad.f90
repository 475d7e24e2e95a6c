module m
  interface operator(-)
  end interface operator(+)
end module m
