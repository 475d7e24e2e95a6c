block data b
  common /c/ x
  interface
end block data b
