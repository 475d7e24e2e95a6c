program p
integer i, j, m, n, q, r, s
parameter (i = 1/0)
parameter (j = 3*-2)
parameter (m = 1/(2**3**2 - 512))
parameter (n = 1/(-2**2 + 4))
parameter (q = 1/(8/2/2 - 2))
parameter (r = 1/(2**3**2 - 64))
parameter (s = 1/(j + 6))
end
