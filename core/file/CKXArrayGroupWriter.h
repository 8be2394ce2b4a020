// Writes a table of the drawing file as an array group: a TOC record, then
// the elements in data records of at most 32 KB (variable-size elements
// also get index records holding each element's offset in its data record).
#pragma once

#include <cstdint>
#include <functional>

#include "CKXRecordList.h"

class CKXArrayGroupWriter {
public:
    static constexpr int kRecordBudget = 32768;

    // How N elements are divided: c per data record, k data records, the
    // last one holding lastCount.
    struct Shape {
        int perRecord = 0;
        int records = 0;
        int lastCount = 0;
    };
    // largest is the element size (the largest one for variable groups). An
    // element larger than the budget still gets a record of its own.
    static Shape ShapeFor(int count, int largest);

    // Writes element index into the buffer, or only measures it when the
    // buffer is null; returns its byte length.
    using ElementWriter = std::function<int(int index, std::uint8_t* buffer)>;

    explicit CKXArrayGroupWriter(CKXRecordList& records) : m_records(records) {}

    // Each returns the number of records written (1 for an empty table), or
    // 0 when writing failed.
    int WriteFixed(int elementSize, int count, const ElementWriter& element);
    int WriteVariable(int count, const ElementWriter& element);

private:
    int WriteEmpty();
    bool WriteToc(const Shape& shape, int slotBytes);
    static const char* DataLabel(bool last) { return last ? "ArrayRecord_Last" : "ArrayRecord"; }

    CKXRecordList& m_records;
};
