// Sanitizer settings for the test binary. The SDL 1.2 compatibility runtime
// never frees the window surface it makes in SDL_SetVideoMode, even after
// SDL_Quit; nothing of ours is allocated under that call. Full stacks on
// every allocation let the suppression see into the runtime. Without the
// sanitizers these hooks are never called.

extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:SDL_SetVideoMode\n";
}
