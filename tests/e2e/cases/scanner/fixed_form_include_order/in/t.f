      PROGRAM P
      INCLUDE 'a.h'
      I = 2147483648
      END
