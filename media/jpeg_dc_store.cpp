// Works through libjpeg's memory-manager interface: requests for block arrays
// come here, and each access gets a window of whole blocks whose DC is copied
// in from the compact store (and back out when the access could write). The
// other coefficients of the window stay zero, as nothing writes them.
#include "media/jpeg_dc_store.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include <jerror.h>

// libjpeg leaves this type incomplete; arrays of this store are its only instances.
struct jvirt_barray_control {
    JDIMENSION rows = 0;
    JDIMENSION blocks_per_row = 0;
    JDIMENSION window_rows = 0;      // the most rows one access asks for
    JCOEF* dc = nullptr;             // rows * blocks_per_row
    JBLOCKARRAY window = nullptr;    // window_rows row pointers
    JDIMENSION window_start = 0;
    JDIMENSION window_used = 0;
    bool window_written = false;
    jvirt_barray_control* next = nullptr;
};

namespace {

struct DcStore {
    jpeg_memory_mgr library;  // the manager's own functions, for everything else
    jvirt_barray_control* arrays = nullptr;
    int requests = 0;         // block arrays are requested component by component
};

bool is_ours(const DcStore& store, jvirt_barray_ptr array) {
    for (jvirt_barray_control* a = store.arrays; a; a = a->next)
        if (a == array) return true;
    return false;
}

DcStore& store_of(j_common_ptr info) { return *static_cast<DcStore*>(info->client_data); }

[[noreturn]] void fail(j_common_ptr info) {
    info->err->msg_code = JERR_BAD_VIRTUAL_ACCESS;
    info->err->error_exit(info);
    std::abort();  // error_exit does not return
}

jvirt_barray_ptr request_array(j_common_ptr info, int pool, boolean pre_zero, JDIMENSION blocks_per_row,
                               JDIMENSION rows, JDIMENSION max_access) {
    DcStore& store = store_of(info);
    const auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    const int component = store.requests++;
    if (component >= decompressor->num_components ||
        jpeg_component_needs_ac(*decompressor, decompressor->comp_info[component]))
        return store.library.request_virt_barray(info, pool, pre_zero, blocks_per_row, rows, max_access);
    void* memory = store.library.alloc_small(info, pool, sizeof(jvirt_barray_control));
    auto* array = new (memory) jvirt_barray_control;
    array->rows = rows;
    array->blocks_per_row = blocks_per_row;
    array->window_rows = max_access;
    array->next = store.arrays;
    store.arrays = array;
    return array;
}

void realize_arrays(j_common_ptr info) {
    DcStore& store = store_of(info);
    store.library.realize_virt_arrays(info);
    for (jvirt_barray_control* a = store.arrays; a; a = a->next) {
        if (a->dc) continue;
        const size_t count = size_t(a->rows) * a->blocks_per_row;
        a->dc = static_cast<JCOEF*>(store.library.alloc_large(info, JPOOL_IMAGE, count * sizeof(JCOEF)));
        std::memset(a->dc, 0, count * sizeof(JCOEF));
        a->window = store.library.alloc_barray(info, JPOOL_IMAGE, a->blocks_per_row, a->window_rows);
        for (JDIMENSION r = 0; r < a->window_rows; ++r) std::memset(a->window[r], 0, a->blocks_per_row * sizeof(JBLOCK));
    }
}

void save_window(jvirt_barray_control& a) {
    for (JDIMENSION r = 0; r < a.window_used; ++r) {
        JCOEF* dc = a.dc + size_t(a.window_start + r) * a.blocks_per_row;
        for (JDIMENSION b = 0; b < a.blocks_per_row; ++b) dc[b] = a.window[r][b][0];
    }
}

void load_window(jvirt_barray_control& a, JDIMENSION start, JDIMENSION rows) {
    for (JDIMENSION r = 0; r < rows; ++r) {
        const JCOEF* dc = a.dc + size_t(start + r) * a.blocks_per_row;
        for (JDIMENSION b = 0; b < a.blocks_per_row; ++b) a.window[r][b][0] = dc[b];
    }
    a.window_start = start;
    a.window_used = rows;
}

JBLOCKARRAY access_array(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start, JDIMENSION rows,
                         boolean writable) {
    const DcStore& store = store_of(info);
    if (!is_ours(store, array)) return store.library.access_virt_barray(info, array, start, rows, writable);
    if (!array->dc || rows > array->window_rows || start + rows > array->rows) fail(info);
    if (array->window_written) save_window(*array);
    load_window(*array, start, rows);
    array->window_written = writable;
    return array->window;
}

}  // namespace

bool jpeg_component_needs_ac(const jpeg_decompress_struct& info, const jpeg_component_info& component) {
    return info.max_h_samp_factor % (2 * component.h_samp_factor) == 0 &&
           info.max_v_samp_factor % (2 * component.v_samp_factor) == 0;
}

void keep_only_dc_coefficients(j_decompress_ptr info) {
    auto* store = static_cast<DcStore*>(info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT,
                                                               sizeof(DcStore)));
    store->library = *info->mem;
    store->arrays = nullptr;
    store->requests = 0;
    info->client_data = store;
    info->mem->request_virt_barray = request_array;
    info->mem->realize_virt_arrays = realize_arrays;
    info->mem->access_virt_barray = access_array;
}
