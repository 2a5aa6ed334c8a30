#pragma once

// Each group of platform tests; argc and argv go to QTest::qExec.
int runAutostartTests(int argc, char** argv);
int runShellTests(int argc, char** argv);
int runClipboardTests(int argc, char** argv);
int runSingleInstanceTests(int argc, char** argv);
int runDialogsTests(int argc, char** argv);
int runTrayTests(int argc, char** argv);
int runLocalAddressTests(int argc, char** argv);

// Helper modes of the test executable, run as a child process by some tests.
int ownClipboardHelper(const char* text);
int singleInstanceHelper(const char* key);

// This test executable's path, for starting it as a helper child.
const char* testExecutable();
