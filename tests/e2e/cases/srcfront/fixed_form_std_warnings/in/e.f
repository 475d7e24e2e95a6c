      END                                                               
