# The fraction search against the stepping search it replaces (run in Release: the reference
# takes about a billion steps).
solfira_test(tst_search LIBS solfira_engine)
