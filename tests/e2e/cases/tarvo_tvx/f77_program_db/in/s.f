      SUBROUTINE S
      X = 1
      END
