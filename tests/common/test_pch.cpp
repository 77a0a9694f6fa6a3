// The owner of the Windows test programs' precompiled header (test_pch.h);
// it holds no code.
