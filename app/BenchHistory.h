#pragma once
// For the whole-program measurements under bench/: with UEGO4100_BENCH_HISTORY_SECONDS set to
// a number of seconds (up to a day), the chart's live history starts with that many seconds of
// readings, ten a second and ending now, so the memory of an hour's history can be measured
// without an hour's wait. Unset, nothing happens.
class TForm1;

void FillBenchHistory(TForm1& form);
