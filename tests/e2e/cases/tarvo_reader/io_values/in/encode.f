      PROGRAM P
      CHARACTER*20 BUF
      INTEGER N, K
      ENCODE (N, 100, BUF) K
      DECODE (N, 100, '   12') K
      ENCODE (20, 100, BUF) K
 100  FORMAT (I5)
      END
