C comment line
      PROGRAM P
   10 I = 1
     1  + 2147483648
    0 J = 3
D     J = 2147483648
	K = 5
	1 + 2147483648
      X = 1.0                                                           $$$
 1A   CONTINUE
   1 XI = 1
      DO 20 I = 1 , 10
   20 CONTINUE
      Y = 1 000 000 000 0
     0J = 2147483648
30	K = 2147483648
      END
