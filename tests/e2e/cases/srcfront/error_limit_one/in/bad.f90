PROGRAM P                                                                                                                                   
CONTINUE                                                                                                                                    
END PROGRAM P
