      SUBROUTINE S(N)
      INTEGER N
      REAL X(N*1.5), Y(2.5)
      X(1) = 1.0
      Y(1) = X(1)
      END
