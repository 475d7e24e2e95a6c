      PROGRAM P
      STRUCTURE
        REAL X
      END STRUCTURE
      STRUCTURE /S/
        REAL X
        STRUCTURE /T/
          REAL Z
        END STRUCTURE
        RECORD /S/ R
      END STRUCTURE
      STRUCTURE /S/
      END STRUCTURE
      RECORD /Q/ Q1
      RECORD /S/ Q2, Q2
      STRUCTURE /U
      END
