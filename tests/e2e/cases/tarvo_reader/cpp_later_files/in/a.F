      PROGRAM P
      END
