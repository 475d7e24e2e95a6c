      SUBROUTINE S(IA, B)
      INTEGER IA(1)
      REAL B(IA(5))
      B(1) = 0.0
      END
