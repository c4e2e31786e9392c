// Names looked up as the engine looks them up when the page runs: a
// procedure's own names, then its class's members, then the page's globals
// (from every file of the page, wherever they stand: the engine collects a
// scope's declarations before running it), then the built-in names. A Sub
// or Function declared twice is the later one when the page runs.
//
// 500, 450 and 506 are raised when the statement runs: after On Error Resume
// Next in the same procedure (or in the page's own code) the engine skips
// the statement and the page goes on, so there they are warnings. New of a
// class the page lacks is an error only where it runs whenever the page
// runs (the page's own code, outside conditions and loops): a shared
// include often guards code for the pages that have the class.
#include "analysis/builtin_names.h"
#include "analysis/check_messages.h"
#include "analysis/page_checks.h"
#include "vbscript/names.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace qasp::analysis {

using vbs::Declaration;
using vbs::DeclarationKind;
using vbs::Diagnostic;
using vbs::kNoNode;
using vbs::Node;
using vbs::NodeId;
using vbs::NodeKind;
using vbs::Severity;
using vbs::SyntaxTree;

namespace {

// How a name is used where it stands.
enum class Role : uint8_t {
    Value,
    Callee,   // called: "foo a", "Call foo(a)", "x = foo(a)"
    Target,   // assigned: "foo = 1", a For variable
    Indexed,  // "foo(1) = 2": an array element assigned
};

// A node to visit, with where it stands.
struct Visit {
    NodeId node;
    Role role;
    int arguments;  // Callee: how many
    NodeId klass, procedure;
    bool conditional;  // inside a condition or a loop: may never run
};

// A New, with where it stands.
struct NewUse {
    NodeId node, procedure;
    bool conditional;
};

struct Use {
    NodeId node;
    Role role;
    int arguments;
    NodeId klass, procedure;
    std::string name;  // folded
};

constexpr int kImplicit = -1;  // a name only ReDim declares

bool IsProcedure(NodeKind k)
{
    return k == NodeKind::Sub || k == NodeKind::Function || k == NodeKind::PropertyGet
           || k == NodeKind::PropertyLet || k == NodeKind::PropertySet;
}

bool IsConditional(NodeKind k)
{
    return k == NodeKind::If || k == NodeKind::Select || k == NodeKind::For || k == NodeKind::ForEach
           || k == NodeKind::Do || k == NodeKind::While;
}

bool IsSubOrFunction(DeclarationKind k)
{
    return k == DeclarationKind::Sub || k == DeclarationKind::Function;
}

int SiblingsFrom(const SyntaxTree &tree, NodeId first)
{
    int count = 0;
    for (NodeId a = first; a != kNoNode; a = tree[a].nextSibling)
        ++count;
    return count;
}

int ParameterCount(const SyntaxTree &tree, NodeId procedure)
{
    for (NodeId c = tree[procedure].firstChild; c != kNoNode; c = tree[c].nextSibling)
        if (tree[c].kind == NodeKind::Params)
            return SiblingsFrom(tree, tree[c].firstChild);
    return 0;
}

class NameChecker {
public:
    NameChecker(const SyntaxTree &tree, const FileEncoding &encoding,
                const std::unordered_set<std::string> &otherGlobals, bool unknownGlobals)
        : tree_(tree),
          encoding_(encoding),
          otherGlobals_(otherGlobals),
          used_(tree.declarations.size(), false),
          dynamicCode_(unknownGlobals)
    {
    }

    std::vector<Diagnostic> Run()
    {
        for (size_t i = 0; i < tree_.declarations.size(); ++i) {
            const Declaration &d = tree_.declarations[i];
            const auto [it, added] = names_[d.scope].emplace(Fold(d.name, d.at.file), static_cast<int>(i));
            if (!added && IsSubOrFunction(d.kind) && IsSubOrFunction(tree_.declarations[it->second].kind))
                it->second = static_cast<int>(i);
            if (d.scope == tree_.root && IsSubOrFunction(d.kind))
                procedureDeclarations_[it->first].push_back(static_cast<int>(i));
        }
        Walk();
        for (auto &[scope, modes] : errorModes_)
            std::sort(modes.begin(), modes.end());
        // ReDim declares a name nothing else did, in the scope it stands in.
        for (const auto &[var, scope] : redims_) {
            const std::string name = Fold(tree_[var].text, tree_[var].span.file);
            if (!Lookup(name, scope, scope) && !IsBuiltinName(name))
                names_[scope].emplace(name, kImplicit);
        }
        for (const Use &use : uses_)
            Resolve(use);
        CheckNew();
        ReportUnused();
        ReportProcedureCase();
        return std::move(out_);
    }

private:
    std::string Fold(std::string_view name, uint32_t file) const
    {
        return vbs::FoldName(name, encoding_(file));
    }

    // Every node once, with a stack of its own: nesting costs no call stack.
    void Walk()
    {
        uses_.reserve(tree_.references.size());
        std::vector<Visit> stack{{tree_.root, Role::Value, 0, kNoNode, kNoNode, false}};
        stack.reserve(256);
        while (!stack.empty()) {
            Visit v = stack.back();
            stack.pop_back();
            const Node &n = tree_[v.node];
            if (n.kind == NodeKind::Class)
                v.klass = v.node;
            else if (IsProcedure(n.kind))
                v.procedure = v.node;
            else if (n.kind == NodeKind::OptionExplicit)
                optionExplicit_ = true;
            else if (n.kind == NodeKind::New)
                news_.push_back({v.node, v.procedure, v.conditional});
            else if (n.kind == NodeKind::OnErrorResumeNext || n.kind == NodeKind::OnErrorGoTo0)
                errorModes_[CodeScope(v.procedure)].emplace_back(v.node,
                                                                 n.kind == NodeKind::OnErrorResumeNext);
            else if (n.kind == NodeKind::Identifier) {
                std::string name = Fold(n.text, n.span.file);
                dynamicCode_ = dynamicCode_ || name == std::string_view("execute")
                               || name == std::string_view("executeglobal");
                uses_.push_back({v.node, v.role, v.arguments, v.klass, v.procedure, std::move(name)});
            }
            const NodeId scope = v.procedure != kNoNode ? v.procedure
                                 : v.klass != kNoNode   ? v.klass
                                                        : tree_.root;
            // The children are visited first to last: in the order they were
            // made, close together in memory.
            const size_t firstPushed = stack.size();
            NodeId child = n.firstChild;
            for (int i = 0; child != kNoNode; ++i, child = tree_[child].nextSibling) {
                Visit c{child, Role::Value, 0, v.klass, v.procedure, v.conditional || IsConditional(n.kind)};
                const bool first = i == 0;
                switch (n.kind) {
                case NodeKind::Invoke:
                    if (first) {
                        c.role = Role::Callee;
                        c.arguments = SiblingsFrom(tree_, tree_[child].nextSibling);
                    }
                    break;
                case NodeKind::Call:
                    c.role = Role::Callee;  // an Apply passes it on to its callee
                    break;
                case NodeKind::Apply:
                    if (first) {
                        c.role = v.role == Role::Target ? Role::Indexed : Role::Callee;
                        c.arguments = SiblingsFrom(tree_, tree_[child].nextSibling);
                    }
                    break;
                case NodeKind::Assign:
                case NodeKind::Set:
                case NodeKind::For:
                case NodeKind::ForEach:
                    if (first)
                        c.role = Role::Target;
                    break;
                case NodeKind::ReDim:
                    if (tree_[child].kind == NodeKind::Var)
                        redims_.emplace_back(child, scope);
                    break;
                default: break;
                }
                stack.push_back(c);
            }
            std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(firstPushed), stack.end());
        }
    }

    bool InsideFunctionNamed(NodeId procedure, const std::string &name) const
    {
        if (procedure == kNoNode)
            return false;
        const Node &p = tree_[procedure];
        return (p.kind == NodeKind::Function || p.kind == NodeKind::PropertyGet)
               && Fold(p.text, p.span.file) == name;
    }

    bool FitsAnotherDeclaration(const std::string &name, int declaration, int arguments) const
    {
        const auto it = procedureDeclarations_.find(name);
        if (it == procedureDeclarations_.end())
            return false;
        return std::any_of(it->second.begin(), it->second.end(), [&](int other) {
            return other != declaration && ParameterCount(tree_, tree_.declarations[other].node) == arguments;
        });
    }

    // The scope whose On Error statements hold for code in `procedure`.
    NodeId CodeScope(NodeId procedure) const { return procedure != kNoNode ? procedure : tree_.root; }

    // Whether On Error Resume Next holds at `node` in `procedure`: the last
    // On Error before it in its scope (in the page's order) says so.
    bool ErrorsResumed(NodeId node, NodeId procedure) const
    {
        const auto it = errorModes_.find(CodeScope(procedure));
        if (it == errorModes_.end())
            return false;
        const auto after =
            std::lower_bound(it->second.begin(), it->second.end(), std::make_pair(node, false));
        return after != it->second.begin() && std::prev(after)->second;
    }

    // A run-time error at `node`: an error unless resumed past.
    Severity RuntimeSeverity(NodeId node, NodeId procedure) const
    {
        return ErrorsResumed(node, procedure) ? Severity::Warning : Severity::Error;
    }

    // The declaration `name` means in a procedure of a class; kImplicit for
    // a name ReDim declared; nothing when it is declared nowhere.
    std::optional<int> Lookup(const std::string &name, NodeId procedure, NodeId klass) const
    {
        for (const NodeId scope : {procedure, klass, tree_.root}) {
            if (scope == kNoNode)
                continue;
            const auto s = names_.find(scope);
            if (s == names_.end())
                continue;
            if (const auto it = s->second.find(name); it != s->second.end())
                return it->second;
        }
        return std::nullopt;
    }

    void Resolve(const Use &use)
    {
        const Node &n = tree_[use.node];
        const std::string &name = use.name;
        const std::optional<int> found = Lookup(name, use.procedure, use.klass);
        if (!found) {
            const NodeId scope = use.procedure != kNoNode ? use.procedure : tree_.root;
            // Code run by Execute or ExecuteGlobal may declare any name.
            const Severity severity = RuntimeSeverity(use.node, use.procedure);
            if (optionExplicit_ && !dynamicCode_ && !IsBuiltinName(name) && !otherGlobals_.contains(name)
                && reportedUndefined_[severity == Severity::Error].insert({scope, name}).second) {
                Diagnostic d = vbs::DiagnosticAt(n.span, severity, kVariableUndefined,
                                                 RuntimeMessageKey(kVariableUndefined));
                d.argument = std::string(n.text);
                out_.push_back(std::move(d));
            }
            return;
        }
        if (*found == kImplicit)
            return;
        used_[*found] = true;
        const Declaration &d = tree_.declarations[*found];
        if (d.kind != DeclarationKind::Sub && d.kind != DeclarationKind::Function)
            return;
        const int parameters = ParameterCount(tree_, d.node);
        // Inside a function its bare name is its result, not a call, even
        // when another declaration of the name is the one that wins.
        const bool call = use.role == Role::Callee
                          || (use.role == Role::Value && d.kind == DeclarationKind::Function
                              && !InsideFunctionNamed(use.procedure, name));
        const int arguments = use.role == Role::Callee ? use.arguments : 0;
        if (call && arguments != parameters) {
            // In a procedure of a file that pages share, a call that fits
            // another declaration of the name is right on the pages where
            // that one wins: a fault of this page only when it runs.
            const Severity severity =
                use.procedure != kNoNode && FitsAnotherDeclaration(name, *found, arguments)
                    ? Severity::Warning
                    : RuntimeSeverity(use.node, use.procedure);
            Diagnostic e = vbs::DiagnosticAt(n.span, severity, kWrongArgumentCount,
                                             RuntimeMessageKey(kWrongArgumentCount));
            e.argument = std::string(n.text);
            e.related.push_back({d.at.file, d.at.begin, d.at.line, d.at.column, "vbscript.declared-here"});
            out_.push_back(std::move(e));
        }
    }

    void CheckNew()
    {
        for (const NewUse &use : news_) {
            const NodeId id = use.node;
            const Node &n = tree_[id];
            const std::string name = Fold(n.text, n.span.file);
            if (IsBuiltinClass(name))
                continue;
            const auto globals = names_.find(tree_.root);
            bool declared = false;
            if (globals != names_.end()) {
                const auto it = globals->second.find(name);
                declared = it != globals->second.end() && it->second != kImplicit
                           && tree_.declarations[it->second].kind == DeclarationKind::Class;
            }
            if (!declared) {
                // New fails only when it runs: in a procedure or under a
                // condition of a shared include, a page that never runs it
                // is fine without the class, so there it is a warning. Code
                // run by Execute or ExecuteGlobal may define the class.
                const Severity severity = use.procedure != kNoNode || use.conditional || dynamicCode_
                                              ? Severity::Warning
                                              : RuntimeSeverity(id, use.procedure);
                Diagnostic d = vbs::DiagnosticAt(n.span, severity, kClassNotDefined,
                                                 RuntimeMessageKey(kClassNotDefined));
                d.argument = std::string(n.text);
                out_.push_back(std::move(d));
            }
        }
    }

    void ReportUnused()
    {
        for (size_t i = 0; i < tree_.declarations.size(); ++i) {
            const Declaration &d = tree_.declarations[i];
            if (d.kind != DeclarationKind::Variable || used_[i] || !IsProcedure(tree_[d.scope].kind))
                continue;
            Diagnostic w = vbs::DiagnosticAt(d.at, Severity::Warning, 0, std::string(kUnusedVariable));
            w.argument = std::string(d.name);
            out_.push_back(std::move(w));
        }
    }

    // Names compare without case, so the later of two spellings silently
    // replaces the earlier: worth a word when they sit in different files.
    void ReportProcedureCase()
    {
        std::unordered_map<std::string, const Declaration *> first;
        for (const Declaration &d : tree_.declarations) {
            if (d.scope != tree_.root
                || (d.kind != DeclarationKind::Sub && d.kind != DeclarationKind::Function))
                continue;
            const auto [it, added] = first.emplace(Fold(d.name, d.at.file), &d);
            const Declaration &earlier = *it->second;
            if (added || earlier.at.file == d.at.file || earlier.name == d.name)
                continue;
            Diagnostic w = vbs::DiagnosticAt(d.at, Severity::Warning, 0, std::string(kProcedureCase));
            w.argument = std::string(d.name);
            w.related.push_back({earlier.at.file, earlier.at.begin, earlier.at.line, earlier.at.column,
                                 std::string(kOtherDeclaration)});
            out_.push_back(std::move(w));
        }
    }

    struct PairHash {
        size_t operator()(const std::pair<NodeId, std::string> &p) const
        {
            return std::hash<std::string>()(p.second) ^ (std::hash<NodeId>()(p.first) << 1);
        }
    };

    const SyntaxTree &tree_;
    const FileEncoding &encoding_;
    const std::unordered_set<std::string> &otherGlobals_;
    std::vector<bool> used_;                                                  // by declaration
    std::unordered_map<NodeId, std::unordered_map<std::string, int>> names_;  // scope -> name -> declaration
    std::vector<Use> uses_;
    std::vector<NewUse> news_;
    // Folded name -> every Sub and Function of the page so named.
    std::unordered_map<std::string, std::vector<int>> procedureDeclarations_;
    // Per scope, its On Error statements: node, and whether Resume Next.
    std::unordered_map<NodeId, std::vector<std::pair<NodeId, bool>>> errorModes_;
    std::vector<std::pair<NodeId, NodeId>> redims_;  // Var, its scope
    // By scope and name, once as an error and once as a warning.
    std::unordered_set<std::pair<NodeId, std::string>, PairHash> reportedUndefined_[2];
    bool optionExplicit_ = false;
    bool dynamicCode_;  // names may come from code or libraries not seen here
    std::vector<Diagnostic> out_;
};

}  // namespace

std::vector<Diagnostic> CheckNames(const SyntaxTree &tree, const FileEncoding &encoding,
                                   const std::unordered_set<std::string> &otherGlobals, bool unknownGlobals)
{
    if (tree.root == kNoNode)
        return {};
    return NameChecker(tree, encoding, otherGlobals, unknownGlobals).Run();
}

}  // namespace qasp::analysis
