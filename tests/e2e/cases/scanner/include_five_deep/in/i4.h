integer i4
include 'i5.h'
j4 = 99999999999
