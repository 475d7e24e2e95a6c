module m
  type t
    sequence
    sequence
  end type t
  type, private :: u
  end type v
  type, protected :: w
  type, public w
  type :: q
    type r
  end type
  end type
  sequence
  type t
end module m
