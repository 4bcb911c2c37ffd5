# The platform-free half of the options dialog: edits of the dictionary
# lists that keep the add-words choice on its dictionary.
add_unit_test(spelling-dialog-logic-tests
  SOURCES config-lists-test.cpp
  LIBS spelling-core testing-support)
