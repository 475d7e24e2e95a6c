include 'd.h'
