#!/usr/bin/python3
"""Parses style sheets with tinycss2 and prints, as JSON by file, the custom properties each
:root rule declares ("schemes": {"": {...}, "dark": {...}}, the latter from a
prefers-color-scheme: dark block) and every var(--a, var(--b)) fallback in any rule
("fallbacks": {"--a": "--b"}), with the parse errors ("errors").

usage: cssvars.py FILE.css...
"""
import json, sys
import tinycss2


def serialize(tokens):
    return tinycss2.serialize(tokens).strip()


def fallbacks(tokens, found):
    for token in tokens or ():
        if token.type == 'function' and token.lower_name == 'var':
            args = [t for t in token.arguments if t.type not in ('whitespace', 'comment')]
            inner = [t for t in args[2:] if t.type == 'function' and t.lower_name == 'var']
            if len(args) > 2 and args[1] == ',' and inner:
                found[args[0].value] = [t for t in inner[0].arguments if t.type == 'ident'][0].value
            fallbacks(token.arguments, found)
        elif token.type in ('function', '() block', '[] block', '{} block'):
            fallbacks(token.arguments if token.type == 'function' else token.content, found)


def read(path):
    result = {'schemes': {}, 'fallbacks': {}, 'errors': []}
    with open(path, encoding='utf-8') as f:
        sheet = tinycss2.parse_stylesheet(f.read(), skip_comments=True, skip_whitespace=True)

    def rules(items, scheme):
        for rule in items:
            if rule.type == 'error':
                result['errors'].append(rule.message)
            elif rule.type == 'at-rule' and rule.content is not None:
                prelude = serialize(rule.prelude).replace(' ', '')
                inner = 'dark' if prelude == '(prefers-color-scheme:dark)' else 'other'
                rules(tinycss2.parse_rule_list(rule.content, skip_comments=True, skip_whitespace=True), inner)
            elif rule.type == 'qualified-rule':
                root = serialize(rule.prelude) == ':root'
                for d in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
                    if d.type == 'error':
                        result['errors'].append(d.message)
                    elif d.type == 'declaration':
                        if root and d.name.startswith('--'):
                            result['schemes'].setdefault(scheme, {})[d.name] = serialize(d.value)
                        fallbacks(d.value, result['fallbacks'])
    rules(sheet, '')
    return result


json.dump({path: read(path) for path in sys.argv[1:]}, sys.stdout)
