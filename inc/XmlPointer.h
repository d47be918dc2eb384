#ifndef VELMAR_XMLPOINTER_H
#define VELMAR_XMLPOINTER_H

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlwriter.h>
#include <libxml/xpath.h>

#include <cassert>

namespace Velmar {
namespace Xml {

// How each libxml2 object type is freed.
inline void freeXmlObject(xmlParserCtxtPtr p) { xmlFreeParserCtxt(p); }
inline void freeXmlObject(xmlDocPtr p) { xmlFreeDoc(p); }
inline void freeXmlObject(xmlXPathContextPtr p) { xmlXPathFreeContext(p); }
inline void freeXmlObject(xmlXPathObjectPtr p) { xmlXPathFreeObject(p); }
inline void freeXmlObject(xmlTextWriterPtr p) { xmlFreeTextWriter(p); }
inline void freeXmlObject(xmlBufferPtr p) { xmlBufferFree(p); }

// Owns one libxml2 object, or nothing, and frees it with the function of its
// type when it goes.
template <typename T>
class xml_scoped_ptr
{
public:
    explicit xml_scoped_ptr(T *p = nullptr)
        : px(p)
    {
    }
    ~xml_scoped_ptr()
    {
        if (px)
            freeXmlObject(px);
    }
    xml_scoped_ptr(const xml_scoped_ptr &) = delete;
    xml_scoped_ptr &operator=(const xml_scoped_ptr &) = delete;

    void reset(T *p = nullptr)
    {
        assert(p == 0 || p != px);
        // Without assertions a reset to the object already held would free
        // it and keep the freed pointer; keep it instead.
        if (p == px)
            return;
        if (px)
            freeXmlObject(px);
        px = p;
    }
    T *get() const { return px; }
    T *operator->() const { return px; }
    explicit operator bool() const { return px != nullptr; }

private:
    T *px;
};

// The parser is set up once for the process and never cleaned up while the
// plug-in is loaded: other code in the host may use libxml2 too, and a
// clean-up would free its global state under it.
inline void ensureInitialized()
{
    static const bool initialized = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialized;
}

} // namespace Xml
} // namespace Velmar

#endif // VELMAR_XMLPOINTER_H
