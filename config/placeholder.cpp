namespace kv {}
