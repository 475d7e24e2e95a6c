module n
  use n
end module n
