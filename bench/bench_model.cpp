// The element list and the results computed on every repaint.
#include "model/measure.h"
#include "translate/translations.h"

#include <benchmark/benchmark.h>

namespace {

void BM_AppendElements(benchmark::State& state) {
    for (auto _ : state) {
        pm::ElementList list;
        for (int i = 0; i < state.range(0); ++i) {
            pm::Telemente* e = list.append();
            e->typ = pm::typAbstand;
            e->x2 = i;
        }
        benchmark::DoNotOptimize(list.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendElements)->Arg(1000)->Arg(10000);

void BM_CalcAllElements(benchmark::State& state) {
    pm::ElementList list;
    for (int i = 0; i < state.range(0); ++i) {
        pm::Telemente* e = list.append();
        e->typ = i % 2 ? pm::typAbstand : pm::typPolygon;
        e->x2 = i;
        e->y2 = i * 0.5;
        if (e->typ == pm::typPolygon)
            for (int k = 0; k < 8; ++k)
                list.appendVertex(*e, k * 3.0, (k * k) % 7);
    }
    pm::Scale scale{200, 50, u"mm"};
    pm::MeasureSums sums;
    for (auto _ : state) {
        list.elemente.First();
        while (list.elemente.WhileNext())
            pm::CalcElement(*list.aele, scale, sums);
        benchmark::DoNotOptimize(sums);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CalcAllElements)->Arg(1000)->Arg(10000);

void BM_TranslateKnownText(benchmark::State& state) {
    pm::Translator t;
    t.InitTranslations(""); // no file: additions stay in memory
    for (int i = 0; i < 2000; ++i)
        t.TranslateText(u"Text " + std::u16string(1, char16_t(u'A' + i % 26)) +
                        std::u16string(i / 26 + 1, u'x'));
    for (auto _ : state)
        benchmark::DoNotOptimize(t.TranslateText(u"Text Mxxxx"));
}
BENCHMARK(BM_TranslateKnownText);

} // namespace

BENCHMARK_MAIN();
