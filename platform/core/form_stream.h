#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/filer.h"
#include "platform/core/properties.h"

namespace kw {

// A form stream holds one component tree: the signature "KWFM", the layout version (an
// integer value), then the root component. Each component is its class name and its name (two
// string values), its properties as (name string, value) pairs up to vaNull, then its children
// the same way up to vaNull. Sub-object properties are stored as "Font.Size"; defined
// properties (TPersistent::DefineProperties) are ordinary pairs too, so every defined
// property's write callback must write exactly one value (a list for several).
inline constexpr std::int32_t kFormStreamVersion = 1;

// Writes a component tree. With an ancestor, each component is compared with the ancestor
// tree's component of the same name and only differing values are stored; TFiler::Ancestor()
// is that component while its DefineProperties runs.
class TFormWriter : public TWriter {
    KW_CLASS(TFormWriter)
public:
    explicit TFormWriter(TStream& stream, int bufferSize = kDefaultBufferSize);

    void WriteHeader();
    void WriteRootComponent(TComponent& root, TComponent* ancestor);

    void DefineProperty(StringView name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(StringView name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    void WriteComponentNode(TComponent& component, TComponent* ancestor);
    void WriteProperties(TPersistent& object, TPersistent* ancestor, int depth);
    void WriteDefinedProperties(TPersistent& object, TPersistent* ancestor);
    void WritePropertyName(StringView name);
    bool IsStored(const TPropInfo& info, const TPropValue& value, TPersistent* ancestor);
    void WritePropValue(const TPropInfo& info, const TPropValue& value);
    String ReferenceName(const TPropInfo& info, TComponent* target) const;
    void WriteSetValue(const TPropInfo& info, std::int64_t bits);

    TComponent* ancestorRoot_ = nullptr;
    // The dotted path of the sub-object being written ("Font."), grown and cut back in place:
    // an application object has hundreds of sub-objects, most of which write nothing.
    String path_;
    std::vector<TComponent*> writing_;
};

// Reads a component tree. Components read get csLoading and csReading; after the whole tree
// has been read, component references are resolved, csReading is removed, and Loaded runs on
// every component in reading order (root first).
//
// When reading fails, the components this read created are destroyed again and the others
// (the root and the existing components read into) lose csLoading and csReading; values
// already assigned to them stay. Loaded is not called. An exception from Loaded itself
// propagates with the tree complete.
class TFormReader : public TReader {
    KW_CLASS(TFormReader)
public:
    explicit TFormReader(TStream& stream, int bufferSize = kDefaultBufferSize);

    // Checks the signature and the version.
    void ReadHeader();
    // Reads into `root`, whose class must be the stream's root class. An existing component
    // of the root with a name and class from the stream is read into instead of created.
    void ReadRootComponent(TComponent& root);
    // Creates the root from the class registry.
    std::unique_ptr<TComponent> ReadNewRootComponent();

    void DefineProperty(StringView name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(StringView name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    struct Fixup {
        TPersistent* object;
        TPropInfoPtr info;
        String target;
    };

    void ReadTree(TComponent& root, const String& name);
    void BeginReading(TComponent& component, const String& name);
    void ReadComponentBody(TComponent& component, TComponent* parent, int depth);
    void ReadChild(TComponent& parent, int depth);
    TComponent& CreateChild(const String& className, const String& name);
    void ReadProperty(TComponent& component);
    void ReadPropertyPath(TPersistent& object, const String& path);
    void ReadPropValue(TPersistent& object, const TPropInfoPtr& info);
    std::int64_t ReadSetValue(const TPropInfo& info);
    void ReadDefinedProperty(TPersistent& object, const String& name);
    void ResolveFixups();
    void FinishReading();
    void AbandonReading();
    bool WasRead(const TComponent* component) const;

    std::vector<TComponent*> read_;     // in reading order
    std::vector<TComponent*> created_;  // by this read, in creation order
    std::vector<Fixup> fixups_;
    String wanted_;  // the defined property being looked for
    bool found_ = false;
};

void WriteComponent(TStream& stream, TComponent& root, TComponent* ancestor = nullptr);
void ReadComponent(TStream& stream, TComponent& root);
std::unique_ptr<TComponent> ReadNewComponent(TStream& stream);

// --- Generic view, without creating components -------------------------------------------------
struct TFormIdent {
    String name;
    bool operator==(const TFormIdent&) const = default;
};
// The member names of a set, in stored order.
struct TFormSet {
    std::vector<String> names;
    bool operator==(const TFormSet&) const = default;
};
struct TFormValue;
struct TFormProperty;
using TFormList = std::vector<TFormValue>;
// An item of a collection: its stored order index, when it has one, and its properties.
struct TFormCollectionItem {
    std::optional<std::int64_t> index;
    std::vector<TFormProperty> properties;
};
using TFormCollection = std::vector<TFormCollectionItem>;
// Integers and floats of every size share one alternative each; `kind` keeps the kind byte
// the value was stored with. std::monostate is only the default-constructed value.
struct TFormValue {
    std::variant<std::monostate, std::int64_t, double, bool, String, TFormIdent,
                 std::vector<std::uint8_t>, TFormList, TFormSet, TFormCollection>
        value;
    TValueType kind = TValueType::vaNull;
};
struct TFormProperty {
    String name;
    TFormValue value;
};
struct TFormNode {
    String className;
    String name;
    std::vector<TFormProperty> properties;
    std::vector<TFormNode> children;
};

TFormNode ReadFormTree(TStream& stream);

}  // namespace kw
