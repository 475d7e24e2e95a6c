module m
  interface assignment(+)
end module m
