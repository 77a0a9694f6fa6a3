// The owner of the test programs' precompiled header (test_pch.h); it holds
// no code.
