#include "platform/core/form_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {

KW_IMPLEMENT_CLASS(TFormWriter, TWriter)
KW_IMPLEMENT_CLASS(TFormReader, TReader)

namespace {

constexpr char kSignature[4] = {'K', 'W', 'F', 'M'};
// Deeper nesting than any real form has; it keeps damaged streams from exhausting the stack.
constexpr int kMaxDepth = 200;

void WriteFormHeader(TWriter& writer) {
    writer.Write(kSignature, sizeof(kSignature));
    writer.WriteInteger(kFormStreamVersion);
}

void ReadFormHeader(TReader& reader) {
    char signature[sizeof(kSignature)] = {};
    std::int32_t version = 0;
    bool complete = true;
    try {
        reader.Read(signature, sizeof(signature));
        version = reader.ReadInteger();
    } catch (const EReadError&) {
        complete = false;
    }
    if (!complete || std::memcmp(signature, kSignature, sizeof(kSignature)) != 0)
        throw EReadError(u"Not a form stream");
    if (version > kFormStreamVersion) {
        throw EReadError(Format(u"Form stream version %d is newer than this library supports (%d)",
                                {version, kFormStreamVersion}));
    }
    if (version < 1)
        throw EReadError(Format(u"Invalid form stream version %d", {version}));
}

void CheckDepth(int depth) {
    if (depth > kMaxDepth)
        throw EReadError(u"The form stream nests too deeply");
}

String DisplayName(const TComponent& component) {
    return component.Name().empty() ? component.ClassName() : component.Name();
}

// Raises the exception being handled as a filer error (keeping its kind when it is one) with
// `context` in front of its message.
[[noreturn]] void RethrowWithContext(const String& context) {
    try {
        throw;
    } catch (EFilerError& e) {
        e.SetMessage(context + e.Message());
        throw;
    } catch (const Exception& e) {
        throw EReadError(context + e.Message());
    }
}

// Comparing with an ancestor: a reference counts by the name of the component it refers to.
TPropValue Comparable(const TPropValue& value) {
    if (const auto* component = std::get_if<TComponent*>(&value)) {
        if (*component == nullptr)
            return std::monostate{};
        return (*component)->Name();
    }
    return value;
}

}  // namespace

// --- TFormWriter -----------------------------------------------------------------------------

TFormWriter::TFormWriter(TStream& stream, int bufferSize) : TWriter(stream, bufferSize) {}

void TFormWriter::WriteHeader() {
    WriteFormHeader(*this);
}

void TFormWriter::WriteRootComponent(TComponent& root, TComponent* ancestor) {
    struct ClearWriting {
        std::vector<TComponent*>& written;
        ~ClearWriting() {
            for (TComponent* component : written)
                component->ExcludeState(csWriting);
            written.clear();
        }
    } guard{writing_};
    SetRoot(&root);
    ancestorRoot_ = ancestor;
    path_.clear();
    WriteComponentNode(root, ancestor);
    SetAncestor(nullptr);
}

void TFormWriter::WriteComponentNode(TComponent& component, TComponent* ancestor) {
    if (std::find(writing_.begin(), writing_.end(), &component) != writing_.end())
        throw EWriteError(DisplayName(component) + u" appears twice in the component tree");
    component.IncludeState(csWriting);
    writing_.push_back(&component);
    WriteString(component.ClassName());
    WriteString(component.Name());
    WriteProperties(component, ancestor, 0);
    WriteListEnd();
    component.GetChildren(
        [this](TComponent& child) {
            TComponent* childAncestor =
                ancestorRoot_ != nullptr ? ancestorRoot_->FindComponent(child.Name()) : nullptr;
            WriteComponentNode(child, childAncestor);
        },
        Root());
    WriteListEnd();
}

void TFormWriter::WriteProperties(TPersistent& object, TPersistent* ancestor, int depth) {
    if (depth > kMaxDepth)
        throw EWriteError(u"The sub-objects of " + path_ + u" nest too deeply");
    const size_t mark = path_.size();
    const std::shared_ptr<const TPropList> properties = GetPropList(object.ClassType());
    for (const TPropInfoPtr& info : *properties) {
        if (info->stored && !info->stored(object))
            continue;
        // An ancestor of another class cannot answer for this property.
        TPersistent* propAncestor =
            ancestor != nullptr && ancestor->InheritsFrom(*info->owner) ? ancestor : nullptr;
        if (info->kind == TPropKind::pkObject) {
            TPersistent* sub = info->subObject(object);
            if (sub == nullptr)
                continue;
            TPersistent* subAncestor =
                propAncestor != nullptr ? info->subObject(*propAncestor) : nullptr;
            path_.append(info->name).push_back(u'.');
            WriteProperties(*sub, subAncestor, depth + 1);
            path_.resize(mark);
            continue;
        }
        const TPropValue value = info->get(object);
        if (!IsStored(*info, value, propAncestor))
            continue;
        WritePropertyName(info->name);
        WritePropValue(*info, value);
    }
    WriteDefinedProperties(object, ancestor);
}

void TFormWriter::WriteDefinedProperties(TPersistent& object, TPersistent* ancestor) {
    SetAncestor(ancestor);
    object.DefineProperties(*this);
}

void TFormWriter::WritePropertyName(StringView name) {
    const size_t mark = path_.size();
    path_ += name;
    WriteString(path_);
    path_.resize(mark);
}

bool TFormWriter::IsStored(const TPropInfo& info, const TPropValue& value, TPersistent* ancestor) {
    if (ancestor != nullptr)
        return Comparable(value) != Comparable(info.get(*ancestor));
    return !info.defaultValue || value != *info.defaultValue;
}

void TFormWriter::WritePropValue(const TPropInfo& info, const TPropValue& value) {
    switch (info.kind) {
        case TPropKind::pkInteger: {
            const std::int64_t number = std::get<std::int64_t>(value);
            if (number < std::numeric_limits<std::int32_t>::min() ||
                number > std::numeric_limits<std::int32_t>::max()) {
                throw EWriteError(u"The value of " + info.name + u" does not fit in 32 bits");
            }
            WriteInteger(static_cast<std::int32_t>(number));
            break;
        }
        case TPropKind::pkInt64:
            WriteInteger(std::get<std::int64_t>(value));
            break;
        case TPropKind::pkBoolean:
            WriteBoolean(std::get<bool>(value));
            break;
        case TPropKind::pkString:
            WriteString(std::get<String>(value));
            break;
        case TPropKind::pkFloat:
            WriteDouble(std::get<double>(value));
            break;
        case TPropKind::pkEnum: {
            const std::int64_t ordinal = std::get<std::int64_t>(value);
            if (ordinal < 0 || ordinal >= static_cast<std::int64_t>(info.enumNames.size()))
                throw EWriteError(u"The value of " + info.name + u" has no name");
            WriteIdent(info.enumNames[static_cast<size_t>(ordinal)]);
            break;
        }
        case TPropKind::pkSet:
            WriteSetValue(info, std::get<std::int64_t>(value));
            break;
        case TPropKind::pkEvent: {
            const String& handler = std::get<String>(value);
            if (handler.empty()) {
                WriteValue(TValueType::vaNil);
            } else {
                WriteIdent(handler);
            }
            break;
        }
        case TPropKind::pkComponent: {
            TComponent* target = std::get<TComponent*>(value);
            if (target == nullptr) {
                WriteValue(TValueType::vaNil);
            } else {
                WriteIdent(ReferenceName(info, target));
            }
            break;
        }
        case TPropKind::pkObject:
            break;  // written property by property
    }
}

// Kind 11, then each member's identifier with a length byte, up to an empty one.
void TFormWriter::WriteSetValue(const TPropInfo& info, std::int64_t bits) {
    const size_t count = info.enumNames.size();
    if (count < 64 && (bits >> count) != 0)
        throw EWriteError(u"The value of " + info.name + u" holds members that have no name");
    WriteValue(TValueType::vaSet);
    for (size_t i = 0; i < count; ++i) {
        if ((bits >> i & 1) == 0)
            continue;
        const String& ident = info.enumNames[i];
        const std::string bytes(ident.begin(), ident.end());
        const auto length = static_cast<std::uint8_t>(bytes.size());
        Write(&length, 1);
        Write(bytes.data(), length);
    }
    const std::uint8_t end = 0;
    Write(&end, 1);
}

String TFormWriter::ReferenceName(const TPropInfo& info, TComponent* target) const {
    const bool inForm = target == Root() || target->Owner() == Root();
    if (!inForm || target->Name().empty()) {
        throw EWriteError(u"Property " + info.name + u" refers to " + DisplayName(*target) +
                          u", which is not a named component of the form being written");
    }
    return target->Name();
}

void TFormWriter::DefineProperty(StringView name, TReaderProc, TWriterProc writeData,
                                 bool hasData) {
    if (!hasData || !writeData)
        return;
    WritePropertyName(name);
    writeData(*this);
}

void TFormWriter::DefineBinaryProperty(StringView name, TStreamProc, TStreamProc writeData,
                                       bool hasData) {
    if (!hasData || !writeData)
        return;
    TMemoryStream block;
    writeData(block);
    WritePropertyName(name);
    WriteBinary(block.Memory(), block.Size());
}

// --- TFormReader -----------------------------------------------------------------------------

TFormReader::TFormReader(TStream& stream, int bufferSize) : TReader(stream, bufferSize) {}

void TFormReader::ReadHeader() {
    ReadFormHeader(*this);
}

void TFormReader::ReadRootComponent(TComponent& root) {
    const String className = ReadString();
    if (!SameText(className, root.ClassName())) {
        throw EReadError(u"The form stream holds a " + className + u", not a " + root.ClassName());
    }
    ReadTree(root, ReadString());
}

std::unique_ptr<TComponent> TFormReader::ReadNewRootComponent() {
    const TClass& cls = FindClass(ReadString());
    if (!cls.InheritsFrom(TComponent::StaticClass()) || !cls.CanCreate())
        throw EReadError(cls.ClassName() + u" is not a component class that can be created");
    std::unique_ptr<TObject> object = cls.CreateInstance(nullptr);
    std::unique_ptr<TComponent> root(static_cast<TComponent*>(object.release()));
    ReadTree(*root, ReadString());
    return root;
}

void TFormReader::ReadTree(TComponent& root, const String& name) {
    SetRoot(&root);
    SetAncestor(nullptr);
    read_.clear();
    created_.clear();
    fixups_.clear();
    try {
        BeginReading(root, name);
        ReadComponentBody(root, nullptr, 0);
        ResolveFixups();
    } catch (...) {
        AbandonReading();
        throw;
    }
    FinishReading();
}

void TFormReader::BeginReading(TComponent& component, const String& name) {
    component.IncludeState(csLoading | csReading);
    read_.push_back(&component);
    if (name.empty() || name == component.Name())
        return;
    try {
        component.SetName(name);
    } catch (const Exception&) {
        RethrowWithContext(u"Error naming a " + component.ClassName() + u": ");
    }
}

void TFormReader::ReadComponentBody(TComponent& component, TComponent* parent, int depth) {
    while (!EndOfList())
        ReadProperty(component);
    ReadListEnd();
    if (parent != nullptr) {
        try {
            component.SetParentComponent(parent);
        } catch (const Exception&) {
            RethrowWithContext(u"Error placing " + DisplayName(component) + u" in " +
                               DisplayName(*parent) + u": ");
        }
    }
    while (!EndOfList())
        ReadChild(component, depth + 1);
    ReadListEnd();
}

void TFormReader::ReadChild(TComponent& parent, int depth) {
    CheckDepth(depth);
    const String className = ReadString();
    const String name = ReadString();
    ReadComponentBody(CreateChild(className, name), &parent, depth);
}

TComponent& TFormReader::CreateChild(const String& className, const String& name) {
    TComponent* existing = Root()->FindComponent(name);
    if (existing != nullptr && SameText(existing->ClassName(), className) && !WasRead(existing)) {
        BeginReading(*existing, name);
        return *existing;
    }
    const TClass& cls = FindClass(className);
    if (!cls.InheritsFrom(TComponent::StaticClass()) || !cls.CanCreate())
        throw EReadError(className + u" is not a component class that can be created");
    TComponent& child = cls.CreateComponent(*Root());
    created_.push_back(&child);
    BeginReading(child, name);
    return child;
}

void TFormReader::ReadProperty(TComponent& component) {
    const String path = ReadString();
    try {
        ReadPropertyPath(component, path);
    } catch (const Exception&) {
        RethrowWithContext(u"Error reading " + DisplayName(component) + u"." + path + u": ");
    }
}

void TFormReader::ReadPropertyPath(TPersistent& object, const String& path) {
    TPersistent* target = &object;
    size_t start = 0;
    for (size_t dot = path.find(u'.'); dot != String::npos; dot = path.find(u'.', start)) {
        const StringView part = StringView(path).substr(start, dot - start);
        TPropInfoPtr info = FindProperty(target->ClassType(), part);
        TPersistent* sub = info != nullptr && info->kind == TPropKind::pkObject
                               ? info->subObject(*target)
                               : nullptr;
        if (sub == nullptr) {
            throw EReadError(u"Property " + String(part) + u" of " + target->ClassName() +
                             u" is not an object");
        }
        target = sub;
        start = dot + 1;
    }
    const String name = path.substr(start);
    TPropInfoPtr info = FindProperty(target->ClassType(), name);
    if (info != nullptr && info->kind != TPropKind::pkObject) {
        ReadPropValue(*target, info);
    } else {
        ReadDefinedProperty(*target, name);
    }
}

void TFormReader::ReadPropValue(TPersistent& object, const TPropInfoPtr& info) {
    auto readReferenceName = [this]() -> String {
        if (NextValue() != TValueType::vaNil)
            return ReadIdent();
        ReadValue();
        return {};
    };
    switch (info->kind) {
        case TPropKind::pkInteger:
            info->set(object, std::int64_t{ReadInteger()});
            break;
        case TPropKind::pkInt64:
            info->set(object, ReadInt64());
            break;
        case TPropKind::pkBoolean:
            info->set(object, ReadBoolean());
            break;
        case TPropKind::pkString:
            info->set(object, ReadString());
            break;
        case TPropKind::pkFloat:
            info->set(object, ReadFloat());
            break;
        case TPropKind::pkEnum: {
            const String ident = ReadIdent();
            auto same = [&](const String& n) { return SameText(n, ident); };
            auto it = std::find_if(info->enumNames.begin(), info->enumNames.end(), same);
            if (it == info->enumNames.end())
                throw EReadError(ident + u" is not a value of " + info->name);
            info->set(object, static_cast<std::int64_t>(it - info->enumNames.begin()));
            break;
        }
        case TPropKind::pkSet:
            info->set(object, ReadSetValue(*info));
            break;
        case TPropKind::pkEvent:
            info->set(object, readReferenceName());
            break;
        case TPropKind::pkComponent: {
            String target = readReferenceName();
            if (target.empty()) {
                info->set(object, static_cast<TComponent*>(nullptr));
            } else {
                fixups_.push_back({&object, info, std::move(target)});
            }
            break;
        }
        case TPropKind::pkObject:
            break;  // sub-objects have no value of their own
    }
}

std::int64_t TFormReader::ReadSetValue(const TPropInfo& info) {
    if (ReadValue() != TValueType::vaSet)
        throw EReadError(u"The value of " + info.name + u" is not a set");
    std::int64_t bits = 0;
    for (;;) {
        std::uint8_t length = 0;
        Read(&length, 1);
        if (length == 0)
            return bits;
        std::string bytes(length, '\0');
        Read(bytes.data(), length);
        const String ident(bytes.begin(), bytes.end());
        auto same = [&](const String& n) { return SameText(n, ident); };
        auto it = std::find_if(info.enumNames.begin(), info.enumNames.end(), same);
        if (it == info.enumNames.end() || it - info.enumNames.begin() >= 63)
            throw EReadError(ident + u" is not a value of " + info.name);
        bits |= std::int64_t{1} << (it - info.enumNames.begin());
    }
}

void TFormReader::ReadDefinedProperty(TPersistent& object, const String& name) {
    wanted_ = name;
    found_ = false;
    object.DefineProperties(*this);
    wanted_.clear();
    if (!found_)
        throw EReadError(u"Property " + name + u" does not exist in " + object.ClassName());
}

void TFormReader::DefineProperty(StringView name, TReaderProc readData, TWriterProc, bool) {
    if (found_ || wanted_.empty() || !SameText(name, wanted_))
        return;
    found_ = true;
    if (readData) {
        readData(*this);
    } else {
        SkipValue();
    }
}

void TFormReader::DefineBinaryProperty(StringView name, TStreamProc readData, TStreamProc, bool) {
    if (found_ || wanted_.empty() || !SameText(name, wanted_))
        return;
    found_ = true;
    const std::vector<std::uint8_t> bytes = ReadBinary();
    if (!readData)
        return;
    TMemoryStream block;
    block.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    block.SetPosition(0);
    readData(block);
}

void TFormReader::ResolveFixups() {
    TComponent& root = *Root();
    for (const Fixup& fixup : fixups_) {
        TComponent* target =
            SameText(root.Name(), fixup.target) ? &root : root.FindComponent(fixup.target);
        if (target == nullptr) {
            throw EReadError(u"Property " + fixup.info->name + u" refers to " + fixup.target +
                             u", which the form does not contain");
        }
        try {
            fixup.info->set(*fixup.object, target);
        } catch (const Exception&) {
            RethrowWithContext(u"Error reading " + fixup.info->name + u": ");
        }
    }
    fixups_.clear();
}

void TFormReader::FinishReading() {
    const std::vector<TComponent*> loaded = std::move(read_);
    read_.clear();
    created_.clear();
    for (TComponent* component : loaded)
        component->ExcludeState(csReading);
    for (TComponent* component : loaded)
        component->Loaded();
}

void TFormReader::AbandonReading() {
    fixups_.clear();
    for (TComponent* component : created_)
        std::erase(read_, component);
    // Last created first; one may already have gone with a component freed before it.
    const std::vector<TComponent*>& owned = Root()->ComponentList();
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        if (std::find(owned.begin(), owned.end(), *it) == owned.end())
            continue;
        std::unique_ptr<TComponent> doomed(*it);  // its destructor unlinks it from the root
    }
    created_.clear();
    for (TComponent* component : read_)
        component->ExcludeState(csLoading | csReading);
    read_.clear();
}

bool TFormReader::WasRead(const TComponent* component) const {
    return std::find(read_.begin(), read_.end(), component) != read_.end();
}

// --- Entry points ----------------------------------------------------------------------------

void WriteComponent(TStream& stream, TComponent& root, TComponent* ancestor) {
    TFormWriter writer(stream);
    writer.WriteHeader();
    writer.WriteRootComponent(root, ancestor);
    writer.FlushBuffer();
}

void ReadComponent(TStream& stream, TComponent& root) {
    TFormReader reader(stream);
    reader.ReadHeader();
    reader.ReadRootComponent(root);
}

std::unique_ptr<TComponent> ReadNewComponent(TStream& stream) {
    TFormReader reader(stream);
    reader.ReadHeader();
    return reader.ReadNewRootComponent();
}

// --- Generic view ------------------------------------------------------------------------------

namespace {

TFormValue ReadAnyValue(TReader& reader, int depth);

TFormList ReadAnyList(TReader& reader, int depth) {
    CheckDepth(depth);
    reader.ReadListBegin();
    TFormList items;
    while (!reader.EndOfList())
        items.push_back(ReadAnyValue(reader, depth + 1));
    reader.ReadListEnd();
    return items;
}

// Names of one length byte and 8-bit text, up to an empty name.
TFormSet ReadAnySet(TReader& reader) {
    reader.ReadValue();
    TFormSet set;
    for (;;) {
        std::uint8_t length = 0;
        reader.Read(&length, 1);
        if (length == 0)
            return set;
        std::string name(length, '\0');
        reader.Read(name.data(), length);
        set.names.push_back(Cp1252ToString(name));
    }
}

std::vector<TFormProperty> ReadAnyProperties(TReader& reader, int depth) {
    std::vector<TFormProperty> properties;
    while (!reader.EndOfList()) {
        TFormProperty property;
        property.name = reader.ReadString();
        property.value = ReadAnyValue(reader, depth);
        properties.push_back(std::move(property));
    }
    reader.ReadListEnd();
    return properties;
}

// Items, each an optional integer order index and a list of properties, up to vaNull.
TFormCollection ReadAnyCollection(TReader& reader, int depth) {
    CheckDepth(depth);
    reader.ReadValue();
    TFormCollection items;
    while (!reader.EndOfList()) {
        TFormCollectionItem item;
        const TValueType kind = reader.NextValue();
        if (kind == TValueType::vaInt8 || kind == TValueType::vaInt16 ||
            kind == TValueType::vaInt32) {
            item.index = reader.ReadInteger();
        }
        reader.ReadListBegin();
        item.properties = ReadAnyProperties(reader, depth + 1);
        items.push_back(std::move(item));
    }
    reader.ReadListEnd();
    return items;
}

TFormValue ReadValueOfKind(TReader& reader, TValueType kind, int depth) {
    switch (kind) {
        case TValueType::vaList:
            return {ReadAnyList(reader, depth)};
        case TValueType::vaSet:
            return {ReadAnySet(reader)};
        case TValueType::vaCollection:
            return {ReadAnyCollection(reader, depth)};
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64:
            return {reader.ReadInt64()};
        case TValueType::vaExtended:
        case TValueType::vaSingle:
        case TValueType::vaCurrency:
        case TValueType::vaDate:
        case TValueType::vaDouble:
            return {reader.ReadFloat()};
        case TValueType::vaFalse:
        case TValueType::vaTrue:
            return {reader.ReadBoolean()};
        case TValueType::vaString:
        case TValueType::vaLString:
        case TValueType::vaWString:
        case TValueType::vaUTF8String:
            return {reader.ReadString()};
        case TValueType::vaIdent:
        case TValueType::vaNil:
        case TValueType::vaNull:
            return {TFormIdent{reader.ReadIdent()}};
        case TValueType::vaBinary:
            return {reader.ReadBinary()};
        default:
            reader.SkipValue();  // raises for a kind it does not know
            return {};
    }
}

TFormValue ReadAnyValue(TReader& reader, int depth) {
    const TValueType kind = reader.NextValue();
    TFormValue value = ReadValueOfKind(reader, kind, depth);
    value.kind = kind;
    return value;
}

TFormNode ReadNode(TReader& reader, int depth) {
    CheckDepth(depth);
    TFormNode node;
    node.className = reader.ReadString();
    node.name = reader.ReadString();
    node.properties = ReadAnyProperties(reader, 0);
    while (!reader.EndOfList())
        node.children.push_back(ReadNode(reader, depth + 1));
    reader.ReadListEnd();
    return node;
}

}  // namespace

TFormNode ReadFormTree(TStream& stream) {
    TReader reader(stream);
    ReadFormHeader(reader);
    return ReadNode(reader, 0);
}

}  // namespace kw
