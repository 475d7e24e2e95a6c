subroutine e
  return
  entry f
  return
end
