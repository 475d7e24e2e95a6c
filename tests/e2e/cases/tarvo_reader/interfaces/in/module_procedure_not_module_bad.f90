program p
  interface g
    module procedure f
  end interface
end program p
