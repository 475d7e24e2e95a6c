block data b
  common /c/ x
  data x /1.0/
end block data b
