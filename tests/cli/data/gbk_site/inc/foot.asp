<p>版权所有 &copy; 示例网站</p></body></html>
