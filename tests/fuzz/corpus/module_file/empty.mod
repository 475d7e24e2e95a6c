VAROK IL file (v2.30F)
0,h1,f1,c0,p0,t2,l0,x0,o1,i0,s0,u0,a1,b0,d0,k0,m0,q0,r0,n0,j0,e0,z0,w45,v0
h0=f0,0,o0,5h2.4.1,24hThu Dec 10 18:27:39 2026,N,1
f0=5he.f90,5he.f90,1,2,1,0,0,0
a0=1hM
o0=a0,0:0,NN,0,0,t0,7,NNNNNNNNNNNNNNN,0,0,0
t0=0,0:0,YN,-1,0,0,1,NNNN,4,t1,0,o0,NNNN
t1=0,0:0,YN,-1,0,0,1,NNNN,13
0
