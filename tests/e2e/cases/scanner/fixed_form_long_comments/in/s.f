C     Long documentation comment of a library routine, Long documentation comment of a library routine, Long documentation comment of a library routine, 
*     ------------------------------------------------------------------------------------------------------------------------------------------------------
      SUBROUTINE S(A, N)
!    ============================================================================================================================================
      INTEGER N
      REAL A(N)
                                                                         bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb
      A(1) = 0.0                                                        sequence number field beyond column 72 sequence number field beyond column 72 
      END
