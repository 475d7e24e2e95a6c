!     Source file st.f90

      subroutine SUB(N)
      integer(2):: N
      integer(2):: I
      integer(2), dimension(:), allocatable:: A
      character(4, 1):: C
      20 format (I5)
! #line 2 "st.f90"
   10 I=1
! #line 3
      if(I<1) then
! #line 4
      go to 10
      else
! #line 5
      return
      end if
! #line 6
      do while (I<1)
! #line 7
      I=1
      end do
! #line 8
      OUTER:
! #line 9
      do I=1, 10
! #line 11
      exit OUTER
! #line 12
      cycle
      end do
! #line 13
      do I=1, 10
! #line 14
      cycle
      end do
! #line 15
      if (I) 10, 10, 10
! #line 16
      if (I) 10, 10, 10
! #line 17
      go to (10, 10) I
! #line 18
      go to I (10, 10)
! #line 19
      return 1
! #line 20
      stop 1
! #line 21
      pause 
! #line 22
      select case(I)
! #line 24
      case (1:10, :0, 10:, 1)
! #line 25
      I=1
! #line 26
      case default
      end select
! #line 27
      where (A>0)
! #line 28
      A=0
      elsewhere
! #line 29
      A=0
      end where
! #line 30
      allocate (A(1:10), stat=I)
! #line 31
      deallocate (A, stat=I)
! #line 32
      nullify (A)
! #line 33
!     array shape of A
! #line 34
!     character length of C
! #line 35
      open (unit=1)
! #line 36
      close (unit=1)
! #line 37
      read (unit=1, fmt=20, iostat=I)
! #line 38
      init_read(1, 20)
! #line 39
      print *
! #line 40
      inquire (unit=1)
! #line 41
      backspace (unit=1)
! #line 42
      endfile (unit=1)
! #line 43
      rewind (unit=1)
! #line 44
      io_process(I)
! #line 45
      finish_io_processing
! #line 46
      call SUB(I)
! #line 47
      entry ENT(N)
! #line 48
      return
      end subroutine SUB

