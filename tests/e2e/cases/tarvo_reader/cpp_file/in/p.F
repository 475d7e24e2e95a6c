C     it's fine
      PROGRAM P
#ifdef BAD
      x==1
#endif
      END
