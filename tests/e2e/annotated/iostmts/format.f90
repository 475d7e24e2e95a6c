! FORMAT statements: valid specifications, and one message per faulty item.
program formats
10 format (1X, I5, 2F10.3, 'text', A, L2, /, 3(I2, :), TL5, T5, SP, BN)
11 format (-1PE12.4, 1P, F10.2, EN12.3, ES12.3E2, G10.3E2)
12 format ()
15 format (' A', 1P / ' B', E12.4, 2P: F8.2, 1P/)
16 format (1PE12.4 / 0P F8.2 // 1X, -2P//, I3, 1P2/ I3)
! expect: warning: hollerith constants are obsolescent
13 format (5Hhello)
! expect: warning: value exceeds field width
14 format (I5.7)
! expect: error: expected a format edit descriptor
20 format (1P)
! expect: error: value must be greater than zero
21 format (0X)
! expect: error: missing integer constant
22 format (X)
! expect: error: scale factor is not allowed
23 format (2P(I3))
! expect: error: repeat count is not allowed
24 format (3BN)
! expect: error: repeat count is not allowed
32 format (1P2: I3)
! expect: error: expected a "."
25 format (F10)
! expect: error: expected an integer constant
26 format (E12.4E)
! expect: error: invalid format edit descriptor
27 format (TX)
! expect: error: expected a ","
28 format (I5I6)
! expect: error: expected a label
format (I5)
! expect: error: expected a "("
29 format I5
! expect: error: invalid format edit descriptor
! expect: error: expected a "."
30 format (Q5, F10)
! status: 2
end program formats
