program inc
  include 'body.inc'
  stop
end program inc
