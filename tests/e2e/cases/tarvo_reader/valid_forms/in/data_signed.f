      PROGRAM P
      INTEGER I, J, K(2)
      REAL R
      DATA I/+3/, J/-76/
      DATA K/2*-32766/, R/-3.2766E-01/
      PRINT *, I, J, K, R
      END
