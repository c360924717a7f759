/* The test libraries carry nothing but their version resources. */
int corvane_test_library;
