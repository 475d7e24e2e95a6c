program p
  real a(10), x
!hpf$ template t(10), t2(10, 10)
!hpf$ distribute x(block)
!hpf$ align a(:) with t2(:, :)
!hpf$ distribute a(block, blocky)
!hpf$ align a(:) with t(:) extra
!hpf$ dynamic a, , x
!hpf$ dynamic n000, n001, n002, n003, n004, n005, n006, n007, n008, n009, n010, n011, n012, n013, n014, n015, n016, n017, n018, n019, n020, n021, n022, n023, n024, n025, n026, n027, n028, n029, n030, n031, n032, n033, n034, n035, n036, n037, n038, n039
end program p
