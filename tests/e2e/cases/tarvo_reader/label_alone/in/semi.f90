program p
;;x=1;;y=2;
  ;  
z=3
end program p
