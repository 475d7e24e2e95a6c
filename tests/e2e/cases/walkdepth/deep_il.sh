#!/usr/bin/env bash
# Prints a valid IL file whose graph nests DEPTH levels along one path of the
# walker: deep_il.sh PATH DEPTH, with PATH one of
#   expr      the right side of an assignment: reference nodes, each to the next
#   block     blocks, each holding the next, around the assignment
#   constant  aggregate constants, each holding the next, around the value 1
#   file      source files, each the only child of the one before
# Apart from that path the file is the one of "program p; integer :: i;
# i = 1; end program p", so a depth of 1 is that program's own IL.
set -eu
path=$1 depth=$2
awk -v path="$path" -v n="$depth" '
BEGIN {
  nf = 1; nc = 1; nx = 3; nb = 1
  if (path == "expr") nx = n + 2
  else if (path == "block") nb = n
  else if (path == "constant") nc = n
  else if (path == "file") nf = n
  else { print "deep_il.sh: unknown path " path > "/dev/stderr"; exit 2 }
  ns = nb + 2
  printf "VAROK IL file (v2.30F)\f\f\n"
  printf "0,h1,f%d,c%d,p0,t3,l0,x%d,o2,i0,s%d,u2,a4,b0,d0,k0,m0,q0,r0,n0,j0,e0,z0,w51,v4\n", nf, nc, nx, ns
  print "h0=f0,u0,o0,5h2.4.1,24hSun Nov 12 00:00:00 2023,N,1"
  print "f0=5hp.f90,5hp.f90,1,4,1," (nf > 1 ? "f1,f1" : "0,0") ",0"
  for (i = 1; i < nf; i++)
    print "f" i "=0h,0h,1,4,1," (i + 1 < nf ? "f" (i + 1) ",f" (i + 1) : "0,0") ",0"
  print "u0=0,0,0,0,c0,0,0,0,0,0,0"
  for (i = 0; i < nc - 1; i++) print "c" i "=3:5,0,t0,3,c" (i + 1) ",c" (i + 1)
  print "c" (nc - 1) "=3:5,0,t0,1,4x01000000"
  print "t0=0,0:0,NN,0,0,4,4,YNNN,1,1"
  print "a0=1hP"
  print "o0=a0,1:9,NN,0,0,t1,8,NNNNNNNNNNNNNNN,0,u1,0"
  print "t1=0,0:0,YN,-1,0,0,1,NNNN,4,t2,0,o0,NNNN"
  print "t2=0,0:0,NN,0,0,0,1,NNNN,0"
  print "u1=o0,0,0,s0,0,0,o1,0,0,0,0"
  print "a1=1hI"
  print "o1=a1,2:12,YN,1,0,t0,0,NNNNNNNNNNNNNNN,0,0,o0"
  for (i = 0; i < nb - 1; i++) print "s" i "=1:1,0,6,0,s" (i + 1) ",s" (i + 1)
  print "s" (nb - 1) "=1:1,0,6,0,s" nb ",s" (nb + 1)
  print "s" nb "=3:1,s" (nb + 1) ",0,x0"
  print "x0=3:1,t2,0,NYNNNNNNNNNN,1,0,23,x1"
  print "a2=1hX"
  print "x1=3:1,t0,x2,NYNNYNNNNNNN,6,a2,o1"
  print "a3=1hY"
  if (nx == 3) print "x2=3:5,t0,0,NYNYNNNNNNNN,4,a3,c0"
  else print "x2=3:5,t0,0,NYNYNNNNNNNN,15,a3,x3"
  for (i = 3; i < nx - 1; i++) print "x" i "=3:5,t0,0,NYNNNNNNNNNN,15,0,x" (i + 1)
  if (nx > 3) print "x" (nx - 1) "=3:5,t0,0,NYNNNNNNNNNN,4,0,c0"
  print "s" (nb + 1) "=4:1,0,15,0,0"
  print "0"
}'
