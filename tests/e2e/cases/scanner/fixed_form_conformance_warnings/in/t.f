      PROGRAM P
      x = 1 ! note
! comment
	Y = 2
D     Z = 3
#line 7
D     Z = 4
      END
