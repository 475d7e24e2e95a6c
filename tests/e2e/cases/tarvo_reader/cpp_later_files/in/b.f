      PROGRAM Q
#ifdef BAD
      X==1
#endif
      END
