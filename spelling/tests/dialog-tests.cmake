# The platform-free halves of the check and options dialogs: where the
# check dialog goes, and edits of the dictionary lists.
add_unit_test(spelling-dialog-logic-tests
  SOURCES dialog-placement-test.cpp config-lists-test.cpp
  LIBS spelling-core testing-support)
