      SUBROUTINE S(IUSED, IUNUSD)
      PRINT *, IUSED
      END
      REAL FUNCTION F(X)
      PRINT *, X
      END
