function f x
end function f
