integer k
