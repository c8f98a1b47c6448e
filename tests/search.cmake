# The fraction search against the stepping search it replaces: about a billion steps of the
# reference in Release, a quarter of them in a Debug build.
solfira_test(tst_search LIBS solfira_engine)
